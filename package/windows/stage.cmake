# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Fills the folder that the zip and the installer hold, from nothing each time, so that no
# file of an earlier build stays in it. Run by package/windows/CMakeLists.txt:
#   cmake -D stage=DIR -D strip=STRIP -D programs=... -D dlls=... -D platforms=...
#         -D styles=... -D licences=SOURCE=NAME;... -P stage.cmake
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/platforms ${stage}/styles ${stage}/licenses)
# Builds keep their debugging information (libstdc++-6.dll is 24 MB with it, 2 MB without);
# what ships does not need it.
function(stripped_copy files folder)
    foreach(file IN LISTS files)
        get_filename_component(name ${file} NAME)
        execute_process(COMMAND ${strip} --strip-unneeded -o ${folder}/${name} ${file}
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endfunction()
stripped_copy("${programs};${dlls}" ${stage})
stripped_copy("${platforms}" ${stage}/platforms)
stripped_copy("${styles}" ${stage}/styles)
foreach(pair IN LISTS licences)
    string(REGEX MATCH "^[^=]*" source "${pair}")
    string(REGEX REPLACE "^[^=]*=" "" name "${pair}")
    configure_file(${source} ${stage}/licenses/${name} COPYONLY)
endforeach()
