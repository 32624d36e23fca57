# The Debian package (scripts/package): CPack's DEB generator over the install rules, with the
# shared-library dependencies found by dpkg-shlibdeps. Built for the prefix /usr. Section math:
# Debian keeps the games section for programs in /usr/games, and the window is only the start.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dlslab)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${DLSLAB_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${DLSLAB_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not name: the platform plugin of a Wayland session (libqt6gui6 holds
# those of X11 and off-screen drawing) and the fonts the board and the log are drawn in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-liberation | fonts-dejavu-core")
# The Python module is built for one interpreter version and imports numpy.
if(TARGET dlslab_python)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "python3 (>= ${DLSLAB_PYTHON_VERSION}), python3 (<< ${DLSLAB_PYTHON_NEXT_VERSION}), python3-numpy")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
# The summary line, then the long description; CPack indents it as a control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "diagonal Latin squares crossword and research workbench
dlslab starts as a crossword: fill a diagonal Latin square of order 10 from
its clues, so that every row, column and both diagonals hold each digit once.

Its research mode transforms squares, computes their properties and
transversals, searches orthogonal diagonal mates with a dancing-links engine,
computes canonical forms, works over collection files, counts the completions
of partial squares and reduces squares to clue sets. The command-line tool
dlslab-cli runs the same commands without a display and works through large
files of squares on every processor.")
include(CPack)
