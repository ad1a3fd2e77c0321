# Two Debian packages from one build (cpack -G DEB in build/): "zarv", the
# game, and "zarv-server", the table server with zarv-sim and its systemd
# unit. Library dependencies come from dpkg-shlibdeps; the rest are named.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game server)
set(CPACK_PACKAGE_NAME zarv)
set(CPACK_PACKAGE_VENDOR "Ombrel Card Games")
set(CPACK_PACKAGE_CONTACT "Ombrel Card Games <zarv@ombrel.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each package's own description starts with its synopsis.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://ombrel.org/zarv")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME zarv)
# Qt's own Farsi for its dialogs, and DejaVu Sans for Persian letters, digits and the suit signs.
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation2, fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_DEBIAN_GAME_DESCRIPTION "trick-taking card game for four players in two teams
Each hand one player, the HAKEM, names the ZARV, the suit that beats the others, after seeing five
of his thirteen cards; seven tricks win a hand and seven points the game.
Play against computer players of two levels, or with friends over the
network, through one player's machine or a table server.")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME zarv-server)
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "adduser, libqt6sql6-sqlite")
set(CPACK_DEBIAN_SERVER_PACKAGE_SUGGESTS "libqt6sql6-psql")
set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/postinst)
set(CPACK_DEBIAN_SERVER_DESCRIPTION "table server for the Zarv card game
Many tables on one port, with a lobby, watchers, computer players in the
empty seats and TLS for private tables, and a web client that phones and
any browser play from (--web-port). Every game is recorded in SQLite or
PostgreSQL. Includes zarv-sim, the headless player for tests and load
measurements, and a systemd unit that runs the server as its own user.")

include(CPack)
