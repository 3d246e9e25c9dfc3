# jh_add_gtest(NAME <name> SOURCES <files...> LIBS <libs...>)
# One GoogleTest binary and one CTest test for it. On the Windows builds CTest runs it under
# Wine through CMAKE_CROSSCOMPILING_EMULATOR, in a prefix of the build tree that a fixture
# creates before the first test and whose wineserver it stops after the last.
set(JH_UNDER_WINE OFF)
if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
    set(JH_UNDER_WINE ON)
    set(JH_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    add_test(NAME wine_prefix_ready COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run --prepare)
    add_test(NAME wine_prefix_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-stop)
    set_tests_properties(wine_prefix_ready PROPERTIES FIXTURES_SETUP wine_prefix
        ENVIRONMENT_MODIFICATION "WINEPREFIX=set:${JH_WINEPREFIX}")
    set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_prefix
        ENVIRONMENT_MODIFICATION "WINEPREFIX=set:${JH_WINEPREFIX}")
endif()

function(jh_add_gtest)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
    if(JH_UNDER_WINE)
        set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine_prefix
            ENVIRONMENT_MODIFICATION "WINEPREFIX=set:${JH_WINEPREFIX}")
    endif()
endfunction()
