# The Windows program: one statically linked 64-bit executable, Railwick.exe,
# with its menu, icon and version record, and the Windows tests of the shell.

set(RAILWICK_WIN_LIBS d3d9 d3dx9 gdiplus ole32 oleaut32 uuid gdi32 user32 advapi32 version shell32
  comdlg32 comctl32 winmm)

# The shell pieces that need no renderer: registry settings, the DirectX
# probe, the resource pack's place, start-up checks, notices, the window base.
# The frame and the scene behind it belong to the program alone.
file(GLOB SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/probes/*.cpp)
file(GLOB PROGRAM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/frame*.cpp
  ${CMAKE_SOURCE_DIR}/app/app_scene*.cpp ${CMAKE_SOURCE_DIR}/app/live_preview.cpp ${CMAKE_SOURCE_DIR}/app/main.cpp)
list(REMOVE_ITEM PROGRAM_SOURCES ${APP_PORTABLE_SOURCES})
list(REMOVE_ITEM SHELL_SOURCES ${PROGRAM_SOURCES} ${APP_PORTABLE_SOURCES})
add_library(railwick_shell STATIC ${SHELL_SOURCES})
target_link_libraries(railwick_shell PUBLIC railwick_core ${RAILWICK_WIN_LIBS})

# Resources: the icon is drawn by a script, the version comes from the project.
set(RAILWICK_RES_DIR ${CMAKE_BINARY_DIR}/res)
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${RAILWICK_RES_DIR}/version.h @ONLY)
add_custom_command(OUTPUT ${RAILWICK_RES_DIR}/railwick.ico
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_icon.py -o ${RAILWICK_RES_DIR}/railwick.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.py)
file(GLOB RAILWICK_RC_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc ${CMAKE_SOURCE_DIR}/res/*.h
  ${CMAKE_SOURCE_DIR}/res/*.manifest)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/railwick.rc PROPERTIES
  OBJECT_DEPENDS "${RAILWICK_RES_DIR}/railwick.ico;${RAILWICK_RES_DIR}/version.h;${RAILWICK_RC_PARTS}")

if(TARGET railwick_render)
  # The preview's window side: the view and the drawing, which the Windows
  # tests link too.
  file(GLOB PREVIEW_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/preview/*_win.cpp)
  add_library(railwick_preview STATIC ${PREVIEW_WIN_SOURCES})
  target_link_libraries(railwick_preview PUBLIC railwick_preview_portable railwick_render)
  add_executable(railwick_app WIN32 ${PROGRAM_SOURCES} ${CMAKE_SOURCE_DIR}/res/railwick.rc)
  set_target_properties(railwick_app PROPERTIES OUTPUT_NAME Railwick)
  target_include_directories(railwick_app PRIVATE ${RAILWICK_RES_DIR} ${CMAKE_SOURCE_DIR}/res)
  target_link_libraries(railwick_app PRIVATE railwick_preview railwick_dialogs railwick_shell railwick_render
    railwick_app_portable)
  target_link_options(railwick_app PRIVATE -municode)
  add_dependencies(railwick_app resource_pack)
endif()
