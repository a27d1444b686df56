# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# What the Windows build takes from the Debian host, and what each Windows program carries.

# nlohmann's JSON is headers only, the same for every target, but Debian installs it among
# the host's headers, which the cross build must never search (glibc's would shadow
# MinGW's). A folder of its own holds a link to its headers and a copy of its CMake files,
# which find their headers relative to themselves.
set(host_json ${CMAKE_BINARY_DIR}/host-json)
find_path(host_json_headers nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_file(host_json_config nlohmann_jsonConfig.cmake PATHS /usr/share/cmake/nlohmann_json
    /usr/lib/cmake/nlohmann_json NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
get_filename_component(host_json_config_dir ${host_json_config} DIRECTORY)
file(MAKE_DIRECTORY ${host_json}/include ${host_json}/share/cmake)
file(CREATE_LINK ${host_json_headers}/nlohmann ${host_json}/include/nlohmann SYMBOLIC)
file(COPY ${host_json_config_dir} DESTINATION ${host_json}/share/cmake)
set(nlohmann_json_DIR ${host_json}/share/cmake/nlohmann_json CACHE PATH "" FORCE)

# The version and icon in a Windows resource, shown by Explorer's properties and by the
# taskbar and Start menu.
function(pelomart_windows_resource target description)
    set(PELOMART_RC_NAME ${target})
    set(PELOMART_RC_DESCRIPTION ${description})
    set(PELOMART_RC_ICON ${PROJECT_SOURCE_DIR}/window/icons/pelomart.ico)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/package/windows/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${PELOMART_RC_ICON})
endfunction()
