# Compiler settings shared by every target: the warning set, -Werror on
# request, checked standard containers, and ccache when it is installed.

add_compile_options(-Wall -Wextra -Wno-unused-parameter)
# libstdc++ checks each container index and iterator it is given: an index
# one past the end stops the program at the fault instead of reading a
# neighbour's bytes into a daily total or a workbook cell, and a test that
# runs such a loop fails instead of passing by luck. The benchmarks of the
# cache load, the grid fill and the values export show no cost beyond noise.
add_compile_definitions(_GLIBCXX_ASSERTIONS)
if(ORV_UNITY_BUILD)
  # A batch includes its sources, so GCC takes a class defined in a .cpp file
  # for one defined in a header and warns when its members use that file's
  # anonymous namespace. Each such class is still private to its source.
  add_compile_options(-Wno-subobject-linkage)
endif()
if(ORV_WERROR)
  # GCC 12 reports -Warray-bounds inside libstdc++'s inlined std::string
  # copies that cannot happen; those stay warnings.
  add_compile_options(-Werror -Wno-error=array-bounds)
endif()

# A rebuild of unchanged sources (another checkout, a fresh build folder)
# comes from the cache. A launcher given on the command line wins.
find_program(ORV_CCACHE ccache)
if(ORV_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${ORV_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${ORV_CCACHE})
endif()

# The plain C++ layers (records, numbers, the workbook engine, the report
# text) get the stricter checks: a shadowed name, a narrowed number or a
# negative value turned unsigned there is a wrong record or a wrong cell.
function(orv_strict_warnings)
  foreach(target IN LISTS ARGN)
    target_compile_options(${target} PRIVATE -Wshadow -Wconversion -Wsign-conversion)
  endforeach()
endfunction()
