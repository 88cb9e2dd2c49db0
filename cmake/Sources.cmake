# Targets: one core library from src/ and Server/, the executable, the server folder, tests, fuzzers, benchmarks.

# Each source folder is an object library with its own dependencies; all of them make up kestro_core.
function(kestro_folder name dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  list(FILTER srcs EXCLUDE REGEX ".*/Server/Main\\.cpp$")
  if(NOT srcs)
    return()
  endif()
  add_library(${name} OBJECT ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARGN})
  target_sources(kestro_core PRIVATE $<TARGET_OBJECTS:${name}>)
  target_link_libraries(kestro_core PUBLIC ${ARGN})
endfunction()

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
add_library(kestro_core STATIC ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
target_include_directories(kestro_core PUBLIC ${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(kestro_core PUBLIC Threads::Threads ${CMAKE_DL_LIBS})

set(KESTRO_COMMON_DEPS PkgConfig::TINYXML2 PkgConfig::ZLIB PkgConfig::OPENSSL PkgConfig::XCRYPT Threads::Threads)
kestro_folder(kestro_engine src/Engine ${KESTRO_COMMON_DEPS})
kestro_folder(kestro_network src/Network ${KESTRO_COMMON_DEPS} PkgConfig::ENET Boost::headers)
kestro_folder(kestro_multiplayer src/Multiplayer ${KESTRO_COMMON_DEPS} PkgConfig::ENET Boost::headers PkgConfig::CURL)
kestro_folder(kestro_scripting src/Scripting ${KESTRO_COMMON_DEPS})
kestro_folder(kestro_js src/JSScripting ${KESTRO_COMMON_DEPS} PkgConfig::MOZJS)
kestro_folder(kestro_lua src/LuaScripting ${KESTRO_COMMON_DEPS} PkgConfig::LUA)
kestro_folder(kestro_squirrel src/SquirrelScripting ${KESTRO_COMMON_DEPS})
kestro_folder(kestro_server Server ${KESTRO_COMMON_DEPS} PkgConfig::ENET Boost::headers PkgConfig::CURL PkgConfig::LUA PkgConfig::MOZJS)

include(cmake/BuiltinArchive.cmake OPTIONAL)

add_executable(kestro-server ${CMAKE_SOURCE_DIR}/Server/Main.cpp)
target_link_libraries(kestro-server PRIVATE kestro_core)
set_target_properties(kestro-server PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/server)

# The ready server folder: executable, default configuration, example resources.
add_custom_target(kestro-server-folder ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/server/resources
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR} -DDST=${CMAKE_BINARY_DIR}/server -P ${CMAKE_SOURCE_DIR}/cmake/LayOutServer.cmake
  DEPENDS kestro-server
  COMMENT "Laying out build/server")

if(KESTRO_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB_RECURSE tool_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/lib/*.cpp)
  if(tool_srcs)
    add_library(kestro_testclient STATIC ${tool_srcs})
    target_include_directories(kestro_testclient PUBLIC ${CMAKE_SOURCE_DIR}/tools/lib)
    target_link_libraries(kestro_testclient PUBLIC kestro_core PkgConfig::ENET)
    add_executable(kestro-client ${CMAKE_SOURCE_DIR}/tools/kestro-client.cpp)
    target_link_libraries(kestro-client PRIVATE kestro_testclient)
  endif()
  file(GLOB_RECURSE unit_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
  if(unit_srcs)
    add_executable(unit_tests ${unit_srcs})
    target_link_libraries(unit_tests PRIVATE kestro_core GTest::gtest GTest::gtest_main GTest::gmock)
    if(TARGET kestro_testclient)
      target_link_libraries(unit_tests PRIVATE kestro_testclient)
    endif()
    target_compile_definitions(unit_tests PRIVATE KESTRO_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
    gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
  file(GLOB_RECURSE e2e_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
  if(e2e_srcs)
    add_executable(e2e_tests ${e2e_srcs})
    target_link_libraries(e2e_tests PRIVATE kestro_core GTest::gtest GTest::gtest_main)
    if(TARGET kestro_testclient)
      target_link_libraries(e2e_tests PRIVATE kestro_testclient)
    endif()
    target_compile_definitions(e2e_tests PRIVATE
      KESTRO_SERVER_BINARY="$<TARGET_FILE:kestro-server>"
      KESTRO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      KESTRO_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
    add_dependencies(e2e_tests kestro-server)
    gtest_discover_tests(e2e_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
  include(cmake/Fuzz.cmake)
endif()

if(KESTRO_BENCH)
  find_package(benchmark QUIET)
  file(GLOB bench_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(benchmark_FOUND AND bench_srcs)
    foreach(src ${bench_srcs})
      get_filename_component(name ${src} NAME_WE)
      add_executable(bench_${name} ${src})
      target_link_libraries(bench_${name} PRIVATE kestro_core benchmark::benchmark benchmark::benchmark_main)
    endforeach()
  endif()
endif()
