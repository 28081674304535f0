# The window tests: the real widgets on Qt's offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)
file(GLOB TORVEX_UI_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui_test_*.cpp)
add_executable(torvex_ui_tests ${TORVEX_UI_TESTS} TestSupport.cpp)
set_target_properties(torvex_ui_tests PROPERTIES AUTOMOC ON)
target_link_libraries(torvex_ui_tests PRIVATE torvex_ui torvex_core Qt6::Test GTest::gtest)
target_include_directories(torvex_ui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
gtest_discover_tests(torvex_ui_tests DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
