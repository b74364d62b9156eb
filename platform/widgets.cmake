# The data-aware widgets: grid model and view, edit, navigator, record label.
target_sources(qmv_platform_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/widgetaction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fieldlink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/datasetmodel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dbgrid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dbedit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dbnavigator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dbtext.cpp
)
