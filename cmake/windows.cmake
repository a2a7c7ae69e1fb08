# The Windows program: Tegolario.exe with its icon and version information. The user
# guide and the password file of a new folder come from the Linux build (see
# tools/windows-folder.py), which can run the programs that write them.
set_target_properties(tegolario PROPERTIES OUTPUT_NAME Tegolario)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TEGOLARIO_ICO ${CMAKE_BINARY_DIR}/tegolario.ico)
add_custom_command(OUTPUT ${TEGOLARIO_ICO}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/icona_ico.py ${TEGOLARIO_ICO}
          ${CMAKE_SOURCE_DIR}/assets/icon/tegolario_32.png ${CMAKE_SOURCE_DIR}/assets/icon/tegolario.png
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/icona_ico.py ${CMAKE_SOURCE_DIR}/assets/icon/tegolario_32.png
          ${CMAKE_SOURCE_DIR}/assets/icon/tegolario.png
  COMMENT "Program icon: tegolario.ico")
configure_file(${CMAKE_SOURCE_DIR}/src/platform/windows/Tegolario.rc.in ${CMAKE_BINARY_DIR}/Tegolario.rc @ONLY)
# The program's target lives in another folder: it waits for the icon through a target.
add_custom_target(tegolario_icona DEPENDS ${TEGOLARIO_ICO})
add_dependencies(tegolario tegolario_icona)
set_source_files_properties(${CMAKE_BINARY_DIR}/Tegolario.rc PROPERTIES OBJECT_DEPENDS ${TEGOLARIO_ICO})
target_sources(tegolario PRIVATE ${CMAKE_BINARY_DIR}/Tegolario.rc)

