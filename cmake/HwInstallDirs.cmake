# Where `cmake --install` puts the program's files (GNU layout under the prefix):
#   bin/hacklewright                     the launcher, which picks the lesson library
#   bin/hacklewright-tool                the authors' tool
#   libexec/hacklewright/hacklewright    the program itself, started by the launcher
#   share/hacklewright/lessons           the demo lesson library
include(GNUInstallDirs)
set(HW_APP_ID org.hacklewright.Hacklewright)
set(HW_INSTALL_PROGRAMDIR ${CMAKE_INSTALL_LIBEXECDIR}/hacklewright)
set(HW_INSTALL_LESSONSDIR ${CMAKE_INSTALL_DATADIR}/hacklewright/lessons)
set(HW_INSTALL_FULL_PROGRAMDIR ${CMAKE_INSTALL_FULL_LIBEXECDIR}/hacklewright)
set(HW_INSTALL_FULL_LESSONSDIR ${CMAKE_INSTALL_FULL_DATADIR}/hacklewright/lessons)
