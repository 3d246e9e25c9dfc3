# jh_add_gtest(NAME <name> SOURCES <files...> LIBS <libs...>)
# One GoogleTest binary and one CTest test for it. On the Windows builds CTest runs it under
# Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(jh_add_gtest)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
endfunction()
