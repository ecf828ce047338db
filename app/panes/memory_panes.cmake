# The memory panes (included by app/CMakeLists.txt after app_shell).
#
# memory_panes_core: what the panes show and do without a window (cell texts,
# row labels, address ranges, the cell-to-byte rule, reads and commits).
add_library(memory_panes_core STATIC
  panes/memory_cells.cpp
  panes/memory_pane.cpp
  panes/memory_range.cpp)
target_include_directories(memory_panes_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/panes)
target_link_libraries(memory_panes_core PUBLIC target)

# The panes' windows belong to the shell.
target_sources(app_shell PRIVATE panes/memory_wnd.cpp)
target_link_libraries(app_shell PUBLIC memory_panes_core)

if(VEXA_BUILD_TESTS)
  vexa_add_test(memory_panes_core_tests
    ${PROJECT_SOURCE_DIR}/target/tests/sim_board.cpp
    panes/tests/memory_cells_test.cpp
    panes/tests/memory_pane_test.cpp
    LIBS memory_panes_core controls_core ${CMAKE_DL_LIBS})
  target_include_directories(memory_panes_core_tests PRIVATE ${PROJECT_SOURCE_DIR}/target/tests)
  add_dependencies(memory_panes_core_tests simboard)

  # The panes in the running debugger, on the simulated board.
  vexa_add_gui_test(memory_panes_gui_tests
    tests/app_gui_main.cpp
    ${PROJECT_SOURCE_DIR}/target/tests/sim_board.cpp
    panes/tests/memory_panes_gui_test.cpp
    LIBS app_shell ${CMAKE_DL_LIBS})
  target_include_directories(memory_panes_gui_tests PRIVATE ${PROJECT_SOURCE_DIR}/target/tests)
  add_dependencies(memory_panes_gui_tests simboard corvex)
endif()
