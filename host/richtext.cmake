# TFormatPanel: the formatting bar of the rich-text editors, with its icons built in (the desktop's
# icon theme may have none).
target_sources(qmv_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/formatpanel.cpp)
qt_add_resources(qmv_host qmv_formatpanel_icons
  PREFIX /qmv/formatpanel
  BASE ${CMAKE_CURRENT_LIST_DIR}/icons
  FILES ${CMAKE_CURRENT_LIST_DIR}/icons/cut.png ${CMAKE_CURRENT_LIST_DIR}/icons/copy.png
        ${CMAKE_CURRENT_LIST_DIR}/icons/paste.png ${CMAKE_CURRENT_LIST_DIR}/icons/undo.png
        ${CMAKE_CURRENT_LIST_DIR}/icons/bold.png ${CMAKE_CURRENT_LIST_DIR}/icons/italic.png
        ${CMAKE_CURRENT_LIST_DIR}/icons/underline.png ${CMAKE_CURRENT_LIST_DIR}/icons/left.png
        ${CMAKE_CURRENT_LIST_DIR}/icons/center.png ${CMAKE_CURRENT_LIST_DIR}/icons/right.png
        ${CMAKE_CURRENT_LIST_DIR}/icons/bullets.png)
