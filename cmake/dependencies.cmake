# Third-party pieces, all from Debian packages or the pinned npm package.

# Boost.JSON, header-only. The include folder holds only a link to Boost, so the cross compiler
# never sees the rest of /usr/include.
set(BOOST_LINK_DIR ${CMAKE_BINARY_DIR}/boost-include)
if(NOT EXISTS ${BOOST_LINK_DIR}/boost)
  file(MAKE_DIRECTORY ${BOOST_LINK_DIR})
  file(CREATE_LINK /usr/include/boost ${BOOST_LINK_DIR}/boost SYMBOLIC)
endif()
add_library(boost_json_headers INTERFACE)
target_include_directories(boost_json_headers SYSTEM INTERFACE ${BOOST_LINK_DIR})
target_compile_definitions(boost_json_headers INTERFACE BOOST_JSON_NO_LIB BOOST_CONTAINER_NO_LIB)

# GoogleTest: the native packages on Linux, built from Debian's sources for Windows.
if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
endif()
include(GoogleTest)

# The webview library, as the pinned npm package ships it, goes next to our executables.
set(WEBVIEW_PACKAGE_DIR ${PROJECT_SOURCE_DIR}/node_modules/webview-bun/build)
if(WIN32)
  set(WEBVIEW_SOURCE ${WEBVIEW_PACKAGE_DIR}/libwebview.dll)
  set(WEBVIEW_FILE_NAME libwebview.dll)
else()
  set(WEBVIEW_SOURCE ${WEBVIEW_PACKAGE_DIR}/libwebview-x64.so)
  set(WEBVIEW_FILE_NAME libwebview.so.0.12)
endif()
if(NOT EXISTS ${WEBVIEW_SOURCE})
  message(FATAL_ERROR "${WEBVIEW_SOURCE} is missing: run scripts/bootstrap first")
endif()
set(WEBVIEW_LIBRARY ${CMAKE_BINARY_DIR}/${WEBVIEW_FILE_NAME})
add_custom_command(OUTPUT ${WEBVIEW_LIBRARY}
  COMMAND ${CMAKE_COMMAND} -E copy ${WEBVIEW_SOURCE} ${WEBVIEW_LIBRARY}
  DEPENDS ${WEBVIEW_SOURCE}
  COMMENT "Copying the webview library")
add_custom_target(webview_library ALL DEPENDS ${WEBVIEW_LIBRARY})
