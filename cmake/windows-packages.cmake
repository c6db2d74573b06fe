# The Windows packages, run by cpack (its External generator) on the 64-bit
# build's installed files:
#   qimbar-<version>-windows.exe  one installer for every Windows, a 32-bit
#       NSIS stub that installs the program that fits the system
#       (resources/windows/qimbar.nsi);
#   qimbar-<version>-windows.zip  the portable program: the 32-bit qimbar.exe,
#       which runs on 32- and 64-bit Windows alike, so nobody has to know
#       which one they have.
# Both programs, the installer and its uninstaller are signed by
# tools/sign-windows when it is given a certificate.
set(source ${CPACK_QIMBAR_SOURCE_DIR})
set(staged ${CPACK_TEMPORARY_DIRECTORY})
set(work ${CPACK_TOPLEVEL_DIRECTORY}/qimbar-packages)
set(name ${CPACK_PACKAGE_FILE_NAME})
set(sign ${source}/tools/sign-windows)

if(NOT EXISTS ${CPACK_QIMBAR_EXE32})
    message(FATAL_ERROR "No 32-bit program at ${CPACK_QIMBAR_EXE32}: build the windows32 preset first")
endif()
if(NOT EXISTS ${staged}/qimbar.exe)
    message(FATAL_ERROR "No qimbar.exe among the installed files in ${staged}")
endif()

function(run)
    execute_process(COMMAND ${ARGN} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/x64 ${work}/x86 ${work}/zip/${name})
file(COPY_FILE ${staged}/qimbar.exe ${work}/x64/qimbar.exe)
file(COPY_FILE ${CPACK_QIMBAR_EXE32} ${work}/x86/qimbar.exe)
run(${sign} ${work}/x64/qimbar.exe)
run(${sign} ${work}/x86/qimbar.exe)

# Whatever else is installed beside the program goes into both packages; the
# uninstaller removes exactly these files.
file(GLOB_RECURSE others RELATIVE ${staged} ${staged}/*)
list(REMOVE_ITEM others qimbar.exe)
set(install "!macro QimbarInstallFiles\n")
set(remove "!macro QimbarRemoveFiles\n")
set(folders "")
foreach(file IN LISTS others)
    get_filename_component(folder ${file} DIRECTORY)
    string(REPLACE "/" "\\" to "${file}")
    set(into "$INSTDIR")
    if(folder)
        string(REPLACE "/" "\\" into "$INSTDIR\\${folder}")
    endif()
    file(COPY ${staged}/${file} DESTINATION ${work}/zip/${name}/${folder})
    string(APPEND install "  SetOutPath \"${into}\"\n  File \"${staged}/${file}\"\n")
    string(APPEND remove "  Delete \"$INSTDIR\\${to}\"\n")
    # The folder and every folder it is in, each to be removed once empty.
    while(folder)
        list(APPEND folders ${folder})
        get_filename_component(folder ${folder} DIRECTORY)
    endwhile()
endforeach()
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
    string(REPLACE "/" "\\" into "${folder}")
    string(APPEND remove "  RMDir \"$INSTDIR\\${into}\"\n")
endforeach()
file(WRITE ${work}/files.nsh "${install}  SetOutPath \"$INSTDIR\"\n!macroend\n${remove}!macroend\n")

run(makensis -V2 -NOCD
    -DVERSION=${CPACK_PACKAGE_VERSION}
    -DOUTFILE=${work}/${name}.exe
    -DEXE64=${work}/x64/qimbar.exe
    -DEXE32=${work}/x86/qimbar.exe
    -DFILES=${work}/files.nsh
    -DLICENSE=${CPACK_RESOURCE_FILE_LICENSE}
    -DICON=${source}/resources/icons/qimbar.ico
    -DSIGN=${sign}
    ${source}/resources/windows/qimbar.nsi)

file(COPY_FILE ${work}/x86/qimbar.exe ${work}/zip/${name}/qimbar.exe)
file(REMOVE ${work}/${name}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${work}/${name}.zip --format=zip ${name}
    WORKING_DIRECTORY ${work}/zip COMMAND_ERROR_IS_FATAL ANY)

set(CPACK_EXTERNAL_BUILT_PACKAGES ${work}/${name}.exe ${work}/${name}.zip)
