#pragma once

// Every setting the program keeps. The first nine are texts a member may
// type or tick (checked before they are stored or used); the others the
// window keeps for itself.
enum class SettingKey {
    UploadHost,
    ImageHost,
    Account,
    Timeout,
    RetryFor,
    Connections,
    KeepLocation,
    MaxSide,
    Quality,
    LastLogin,
    WindowPosition,
    LastImportFolder,
};

// The build's values that features take as their own defaults, so that a
// default is written once.
namespace SettingDefaults {
inline constexpr char Account[] = "418265";
inline constexpr int TimeoutSeconds = 60;
inline constexpr int RetryForSeconds = 600;
inline constexpr int MostConnections = 8;
inline constexpr int LongestMaxSide = 65500;
inline constexpr int Quality = 90;
}
