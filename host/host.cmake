# The host library proper: the UI seam, the guard, routines, components and base forms.
target_sources(qmv_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ui.cpp
  ${CMAKE_CURRENT_LIST_DIR}/guard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menserro.cpp
  ${CMAKE_CURRENT_LIST_DIR}/busywindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/routines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hostconfig.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codestructure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/loadbpl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tmessages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tbuttonflat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tcustompagecontrol98.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qtui.cpp
  ${CMAKE_CURRENT_LIST_DIR}/searchlistdialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/finddialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pesquisa.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tbtnpesquisa.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tdbdateeditplus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tedbimage.cpp
)
