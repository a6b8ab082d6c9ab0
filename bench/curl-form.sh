# Sourced by the benchmarks: a curl config that posts every picture of a
# folder as the program's own form does, one transfer after another with
# "next", so that one curl process can stand beside picaroon.
curl_form_config() { # config url login digest folder
    local config=$1 url=$2 login=$3 digest=$4 folder=$5
    : >"$config"
    for f in "$folder"/*.jpg; do
        [ -s "$config" ] && echo next >>"$config"
        cat >>"$config" <<CFG
url = "$url"
http1.0
form = "module=photolib"
form = "new_file=@$f;filename=Virtual File;type=image/pjpeg"
cookie = "user_login=$login; user_pass=$digest"
output = "/dev/null"
CFG
    done
}
