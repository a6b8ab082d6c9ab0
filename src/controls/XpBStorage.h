#pragma once

class PropertyBag;
class XpB;

// A button's stored properties: keys, kinds and defaults, the order they
// are read in and the order they are written in. Values are read straight
// into the button, not through its setters.
class XpBStorage
{
public:
    static void Read(XpB &button, const PropertyBag &bag);
    static void Write(const XpB &button, PropertyBag &bag);
};
