# Third-party libraries as imported targets:
#   deps::jsoncpp deps::tinyxml deps::minizip deps::zlib
# MinGW builds use the prefix that scripts/setup builds; native Linux builds use
# Debian's -dev packages (only the platform-neutral core is built natively);
# MSVC builds find the libraries that vcpkg installs from vcpkg.json.
if(WIN32 AND NOT MSVC)
  set(QEL_DEPS_PREFIX "$ENV{QEL_DEPS_DIR}/prefix-mingw" CACHE PATH "Prefix of the cross-built dependencies")
  if(NOT EXISTS "${QEL_DEPS_PREFIX}/lib/libjsoncpp.a")
    message(FATAL_ERROR "Dependencies not found in ${QEL_DEPS_PREFIX}: run scripts/setup first")
  endif()
  set(_inc "${QEL_DEPS_PREFIX}/include")
  set(_lib "${QEL_DEPS_PREFIX}/lib")
  set(_json_lib "${_lib}/libjsoncpp.a")
  set(_json_inc "${_inc}")
  set(_tiny_lib "${_lib}/libtinyxml.a")
  set(_tiny_inc "${_inc}/tinyxml")
  set(_mz_lib "${_lib}/libminizip.a")
  set(_mz_inc "${_inc}/minizip")
  set(_z_lib "${CMAKE_FIND_ROOT_PATH}/lib/libz.a")
  set(_z_inc "${CMAKE_FIND_ROOT_PATH}/include")
else()
  find_library(_json_lib NAMES jsoncpp REQUIRED)
  find_path(_json_inc json/json.h PATH_SUFFIXES jsoncpp REQUIRED)
  find_library(_tiny_lib NAMES tinyxml REQUIRED)
  find_path(_tiny_inc tinyxml.h REQUIRED)
  find_library(_mz_lib NAMES minizip REQUIRED)
  find_path(_mz_inc unzip.h PATH_SUFFIXES minizip REQUIRED)
  find_library(_z_lib NAMES z zlib REQUIRED)
  find_path(_z_inc zlib.h REQUIRED)
endif()

function(qel_import name lib inc)
  add_library(deps::${name} UNKNOWN IMPORTED GLOBAL)
  set_target_properties(deps::${name} PROPERTIES
    IMPORTED_LOCATION "${lib}" INTERFACE_INCLUDE_DIRECTORIES "${inc}")
endfunction()

qel_import(zlib "${_z_lib}" "${_z_inc}")
qel_import(jsoncpp "${_json_lib}" "${_json_inc}")
qel_import(tinyxml "${_tiny_lib}" "${_tiny_inc}")
set_property(TARGET deps::tinyxml PROPERTY INTERFACE_COMPILE_DEFINITIONS TIXML_USE_STL)
qel_import(minizip "${_mz_lib}" "${_mz_inc}")
set_property(TARGET deps::minizip PROPERTY INTERFACE_LINK_LIBRARIES deps::zlib)
