# cmake -DBUILD_DIR=... -DWORK_DIR=... -DDPKG_DEB=... -P check_package.cmake
cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}"
                WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed (${result}): ${out}${err}")
endif()
file(GLOB packages "${WORK_DIR}/*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb, found: ${packages}")
endif()

execute_process(COMMAND "${DPKG_DEB}" --field "${packages}" Package Depends Maintainer
                OUTPUT_VARIABLE fields RESULT_VARIABLE result)
execute_process(COMMAND "${DPKG_DEB}" --contents "${packages}"
                OUTPUT_VARIABLE contents RESULT_VARIABLE result2)
if(NOT result EQUAL 0 OR NOT result2 EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${packages}")
endif()

set(failures "")
foreach(piece "Package: vesk" "libqt6widgets6" "libqt6gui6" "libqt6printsupport6" "libqt6core6"
              "libqt6dbus6" "libc6 (>= 2.34)" "libstdc++6 (>= 11)" "fonts-liberation"
              "Maintainer: ")
    string(FIND "${fields}" "${piece}" at)
    if(at EQUAL -1)
        list(APPEND failures "control field lacks ${piece}")
    endif()
endforeach()
foreach(path "./usr/bin/vesk" "./usr/bin/vesk-run" "./usr/share/applications/org.vesk_lang.vesk.desktop"
             "./usr/share/mime/packages/vesk.xml"
             "./usr/share/icons/hicolor/256x256/apps/vesk.png"
             "./usr/share/man/man1/vesk.1" "./usr/share/man/man1/vesk-run.1"
             "./usr/share/metainfo/org.vesk_lang.vesk.metainfo.xml")
    string(FIND "${contents}" " ${path}\n" at)
    if(at EQUAL -1)
        list(APPEND failures "package lacks ${path}")
    endif()
endforeach()
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "Package check failed:\n  ${text}")
endif()
