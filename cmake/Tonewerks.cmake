# Build helpers shared by the deliverables and the tests.

# tw_add_vst(NAME LIBS...): a VST 2.4 shared library exporting only VSTPluginMain and main.
function(tw_add_vst name)
  add_library(${name} SHARED ${CMAKE_SOURCE_DIR}/effectbase/vstpluginmain.cpp)
  target_link_libraries(${name} PRIVATE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins)
  if(WIN32)
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/effectbase/vstplugin.def)
  else()
    # nodelete: once loaded, the library stays for the life of the process. Hosts' scanners load and
    # unload a plug-in many times, and the graphics libraries it pulls in (Cairo, fontconfig, X11)
    # leave state behind on every unload; resident, they are set up once, as in any desktop program.
    target_link_options(${name} PRIVATE
      -Wl,--version-script=${CMAKE_SOURCE_DIR}/effectbase/vstplugin.map
      -Wl,-Bsymbolic -Wl,--exclude-libs,ALL -Wl,-z,nodelete)
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/effectbase/vstplugin.map)
  endif()
endfunction()

# Every test's environment. Fontconfig keeps its caches for the life of the process; the leak checker
# of the sanitizer builds is told so (and ignores the setting elsewhere).
set(TW_TEST_ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp")

# tw_add_test(NAME SOURCES... [LIBS lib...]): a GoogleTest program run by ctest (under Wine when cross-built).
function(tw_add_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name})
  # 77: the Wine runner found no way to run 32-bit programs at a usable speed.
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77 ENVIRONMENT "${TW_TEST_ENVIRONMENT}")
endfunction()

# tw_compile_resources(OUTPUT DESCRIPTION): the rule that makes a Pro Tools plug-in's .rsr file.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
function(tw_compile_resources output description)
  set(compiler ${CMAKE_SOURCE_DIR}/protools/library/rsrcompile.py)
  add_custom_command(OUTPUT ${output}
    COMMAND Python3::Interpreter ${compiler} ${description} ${output}
    DEPENDS ${compiler} ${description}
    COMMENT "Compiling resources ${output}" VERBATIM)
endfunction()

# tw_add_protools_plugin(NAME SOURCES src... RESOURCES description LIBS lib...): a Pro Tools plug-in file
# exporting only WinPlugInOpen, WinPlugInClose, _PI_GetRoutineDescriptor and NewPlugIn, with its
# resource file (the file's own name and ".rsr") beside it.
function(tw_add_protools_plugin name)
  cmake_parse_arguments(P "" "RESOURCES" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${CMAKE_SOURCE_DIR}/protools/library/PlugInExports.cpp ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins)
  if(WIN32)
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/protools/library/plugin.def)
  else()
    # Resident once loaded, as the VST plug-ins are (see tw_add_vst).
    target_link_options(${name} PRIVATE
      -Wl,--version-script=${CMAKE_SOURCE_DIR}/protools/library/plugin.map
      -Wl,-Bsymbolic -Wl,--exclude-libs,ALL -Wl,-z,nodelete)
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/protools/library/plugin.map)
  endif()
  set(rsr ${CMAKE_BINARY_DIR}/plugins/${name}${CMAKE_SHARED_LIBRARY_SUFFIX}.rsr)
  tw_compile_resources(${rsr} ${P_RESOURCES})
  add_custom_target(${name}_resources DEPENDS ${rsr})
  add_dependencies(${name} ${name}_resources)
endfunction()
