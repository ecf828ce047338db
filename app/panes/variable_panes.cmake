# The variable and symbol panes (Search, Local Variable, Global Variable,
# Symbol) and the value tips of the source windows. Included by
# app/CMakeLists.txt: the rules and texts go into app_panes_core, the
# windows into app_shell.
set(VARIABLE_PANES_DIR ${CMAKE_CURRENT_LIST_DIR})

target_sources(app_panes_core PRIVATE
  ${VARIABLE_PANES_DIR}/global_variables.cpp
  ${VARIABLE_PANES_DIR}/local_variables.cpp
  ${VARIABLE_PANES_DIR}/symbol_rows.cpp
  ${VARIABLE_PANES_DIR}/value_tip.cpp
  ${VARIABLE_PANES_DIR}/variable_rows.cpp
  ${VARIABLE_PANES_DIR}/watch_range.cpp
  ${VARIABLE_PANES_DIR}/watch_rows.cpp)

target_sources(app_shell PRIVATE
  ${VARIABLE_PANES_DIR}/pane_support.cpp
  ${VARIABLE_PANES_DIR}/symbol_wnd.cpp
  ${VARIABLE_PANES_DIR}/value_tip_view.cpp
  ${VARIABLE_PANES_DIR}/variable_all_wnd.cpp
  ${VARIABLE_PANES_DIR}/variable_panes.cpp
  ${VARIABLE_PANES_DIR}/variable_wnd.cpp)

if(VEXA_BUILD_TESTS)
  vexa_add_test(variable_panes_tests
    ${PROJECT_SOURCE_DIR}/target/tests/sim_board.cpp
    ${VARIABLE_PANES_DIR}/tests/variable_rows_test.cpp
    ${VARIABLE_PANES_DIR}/tests/watch_rows_test.cpp
    ${VARIABLE_PANES_DIR}/tests/symbol_rows_test.cpp
    LIBS app_panes_core ${CMAKE_DL_LIBS})
  target_include_directories(variable_panes_tests PRIVATE ${PROJECT_SOURCE_DIR}/target/tests)
  add_dependencies(variable_panes_tests simboard)

  # The panes in the running application, on the simulated board.
  vexa_add_gui_test(variable_panes_gui_tests
    ${CMAKE_CURRENT_LIST_DIR}/../tests/app_gui_main.cpp
    ${VARIABLE_PANES_DIR}/tests/variable_panes_gui_test.cpp
    LIBS app_shell ${CMAKE_DL_LIBS})
  target_include_directories(variable_panes_gui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tests)
  add_dependencies(variable_panes_gui_tests simboard corvex)
endif()
