# The Debian package: `cpack -G DEB` in the build folder (`make package`) packs what the install
# rules install, under /usr. The Qt and system libraries the programs link become the package's
# dependencies through dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME "morvi")
set(CPACK_PACKAGE_VENDOR "Morvi")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "level editor and resource workbench for Dark Forces")
set(CPACK_PACKAGE_DESCRIPTION
    "Morvi is a level editor for the 1995 game Dark Forces: it draws a level's sectors, walls and\n"
    "vertices on a map, places objects, writes INF scripts, walks through the level in 3D and\n"
    "saves the game's own level files back into its GOB archive. It also views and converts the\n"
    "game's textures, sprites, 3D objects, sounds, palettes and films, and manages GOB and LFD\n"
    "archives. A sample level and stand-ins for the game's archives come with it.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "Morvi developers <morvi@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${MORVI_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Test GOB runs the game in DOSBox unless another game command is set.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "dosbox")
include(CPack)
