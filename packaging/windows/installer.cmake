# The Windows installer, made with NSIS: build/windows/package/plugin-generator-setup-VERSION.exe.
# Included by app/CMakeLists.txt for the Windows build; tests/wine runs it under Wine.
find_program(MAKENSIS makensis REQUIRED)

set(WINDOWS_SETUP ${CMAKE_BINARY_DIR}/package/plugin-generator-setup-${PROJECT_VERSION}.exe)
set(WINDOWS_SETUP_SCRIPT ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi)
add_custom_command(OUTPUT ${WINDOWS_SETUP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
  COMMAND ${MAKENSIS} -V2 -NOCD
          -DVERSION=${PROJECT_VERSION}
          -DPROGRAM=$<TARGET_FILE:plugin-generator>
          -DWEBVIEW_LIBRARY=${WEBVIEW_LIBRARY}
          -DICON=${PROGRAM_ICO}
          -DOUTFILE=${WINDOWS_SETUP}
          ${WINDOWS_SETUP_SCRIPT}
  DEPENDS ${WINDOWS_SETUP_SCRIPT} plugin-generator ${WEBVIEW_LIBRARY} ${PROGRAM_ICO}
  COMMENT "Making the Windows installer"
  VERBATIM)
add_custom_target(windows_setup ALL DEPENDS ${WINDOWS_SETUP})
