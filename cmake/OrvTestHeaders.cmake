# Precompiled headers for the test programs. Two small programs compile the
# headers once: GoogleTest alone for the plain C++ tests, GoogleTest with Qt
# Widgets for the tests that link Qt. Every test program reuses one of them,
# so compiler flags must match: Qt programs are built with -fPIC, the others
# with -fPIE. Qt Test's headers stay out, since Qt Test defines a macro per
# test folder that would make the header unusable everywhere else.

set(ORV_TEST_PCH_PLAIN <gtest/gtest.h> <memory> <string> <vector>)
set(ORV_TEST_PCH_QT ${ORV_TEST_PCH_PLAIN} <QtWidgets>)

# Sets ${out} to TRUE when target links a Qt library, directly or through
# the project's own libraries.
function(orv_links_qt target out)
  set(pending ${target})
  set(seen)
  while(pending)
    list(POP_FRONT pending current)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" current "${current}")
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    if(current MATCHES "^Qt6::")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    get_target_property(imported ${current} IMPORTED)
    if(imported)
      continue()
    endif()
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(libs ${current} ${property})
      if(libs)
        list(APPEND pending ${libs})
      endif()
    endforeach()
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

function(orv_add_pch_holder name)
  set(anchor ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  file(CONFIGURE OUTPUT ${anchor} CONTENT "int main() { return 0; }\n")
  add_executable(${name} EXCLUDE_FROM_ALL ${anchor})
  target_link_libraries(${name} PRIVATE ${ARGN})
endfunction()

# Gives every test program under the current folder one of the two headers.
function(orv_test_precompiled_headers)
  orv_add_pch_holder(orv_test_pch_plain GTest::gtest)
  target_precompile_headers(orv_test_pch_plain PRIVATE ${ORV_TEST_PCH_PLAIN})
  orv_add_pch_holder(orv_test_pch_qt GTest::gtest Qt6::Widgets)
  target_precompile_headers(orv_test_pch_qt PRIVATE ${ORV_TEST_PCH_QT})

  # Every folder below this one, nested ones included.
  get_property(pending DIRECTORY PROPERTY SUBDIRECTORIES)
  set(subdirs "")
  while(pending)
    list(POP_FRONT pending dir)
    list(APPEND subdirs ${dir})
    get_property(nested DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${nested})
  endwhile()
  foreach(dir IN LISTS subdirs)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(NOT type STREQUAL "EXECUTABLE")
        continue()
      endif()
      orv_links_qt(${target} qt)
      if(qt)
        target_precompile_headers(${target} REUSE_FROM orv_test_pch_qt)
      else()
        target_precompile_headers(${target} REUSE_FROM orv_test_pch_plain)
      endif()
    endforeach()
  endforeach()
endfunction()
