# The Windows build's packages, under build-win32/package/: the installer
# yomite-VERSION-setup.exe (packaging/yomite.nsi, made with makensis) and the
# portable archive yomite-VERSION-win64.zip. Both are part of the build when
# makensis is installed (scripts/bootstrap installs it), so the installer's
# tests under Wine always have the installer of the programs they test.
find_program(YOMITE_MAKENSIS makensis)
set(package_dir ${PROJECT_BINARY_DIR}/package)
set(stage ${package_dir}/stage)
set(YOMITE_INSTALLER ${package_dir}/yomite-${PROJECT_VERSION}-setup.exe)
set(YOMITE_PORTABLE_ZIP ${package_dir}/yomite-${PROJECT_VERSION}-win64.zip)

set(texts ${stage}/LICENSE.txt ${stage}/README.txt)
add_custom_command(OUTPUT ${texts}
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/LICENSE -DOUT=${stage}/LICENSE.txt
    -P ${PROJECT_SOURCE_DIR}/cmake/windows-text.cmake
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/packaging/README-windows.txt
    -DOUT=${stage}/README.txt -DVERSION=${PROJECT_VERSION}
    -P ${PROJECT_SOURCE_DIR}/cmake/windows-text.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/packaging/README-windows.txt
    ${PROJECT_SOURCE_DIR}/cmake/windows-text.cmake)

add_custom_command(OUTPUT ${YOMITE_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/portable
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:yomite> $<TARGET_FILE:yomiseal> ${texts}
    ${stage}/portable/
  COMMAND ${CMAKE_COMMAND} -E chdir ${stage}/portable
    ${CMAKE_COMMAND} -E tar cf ${YOMITE_PORTABLE_ZIP} --format=zip
      yomite.exe yomiseal.exe LICENSE.txt README.txt
  DEPENDS yomite yomiseal ${texts})
set(packages ${YOMITE_PORTABLE_ZIP})

if(YOMITE_MAKENSIS)
  add_custom_command(OUTPUT ${YOMITE_INSTALLER}
    COMMAND ${YOMITE_MAKENSIS} -V2 -INPUTCHARSET UTF8
      -DVERSION=${PROJECT_VERSION}
      -DVERSION4=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0
      -DOUTFILE=${YOMITE_INSTALLER}
      -DYOMITE_EXE=$<TARGET_FILE:yomite> -DYOMISEAL_EXE=$<TARGET_FILE:yomiseal>
      -DLICENSE_TXT=${stage}/LICENSE.txt -DREADME_TXT=${stage}/README.txt
      -DICON=${PROJECT_SOURCE_DIR}/data/yomite.ico
      ${PROJECT_SOURCE_DIR}/packaging/yomite.nsi
    DEPENDS yomite yomiseal ${texts} ${PROJECT_SOURCE_DIR}/packaging/yomite.nsi
      ${PROJECT_SOURCE_DIR}/data/yomite.ico)
  list(APPEND packages ${YOMITE_INSTALLER})
endif()
add_custom_target(packages ALL DEPENDS ${packages})
