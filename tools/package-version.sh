# Sourced by the package checks: the version lives in CMakeLists.txt alone.
#   package_version <build folder>   prints the version CMake gave that
#                                    build's packages, or fails
package_version() {
    local version
    version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$1/CPackConfig.cmake" 2>/dev/null)
    if [ -z "$version" ]; then
        echo "error: no package version in $1/CPackConfig.cmake (is it a configured build?)" >&2
        return 1
    fi
    echo "$version"
}
