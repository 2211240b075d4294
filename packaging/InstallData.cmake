# Runs inside `cmake --install`: installs the material, the empty patient
# database and the menu entry. Set by the caller: LOQUENA_DATA_CONFIGURED,
# LOQUENA_DATA_BUILT, LOQUENA_TEMPLATE, LOQUENA_DESKTOP_IN, LOQUENA_DESKTOP_OUT,
# LOQUENA_BINDIR, LOQUENA_DATADIR. file(INSTALL) adds DESTDIR by itself.

# Where the built material comes from: the environment's LOQUENA_DATA, else
# the configured one, else the install's own data build.
if(NOT "$ENV{LOQUENA_DATA}" STREQUAL "")
  set(_from "$ENV{LOQUENA_DATA}")
elseif(NOT "${LOQUENA_DATA_CONFIGURED}" STREQUAL "")
  set(_from "${LOQUENA_DATA_CONFIGURED}")
else()
  set(_from "${LOQUENA_DATA_BUILT}")
endif()
# A program folder often links its Data/: install what the link names.
file(REAL_PATH "${_from}/Data" _material)
foreach(needed sdrow.qp grwin.bc bttofa.bc cextb.bc zdjar3.bb zdjar5.bb sp.b)
  if(NOT EXISTS "${_material}/${needed}")
    message(FATAL_ERROR
      "No built material in ${_from}/Data (${needed} is missing). Build it first:\n"
      "  cmake --build <build> --target loquena-install-data\n"
      "or name a program folder with its Data/: LOQUENA_DATA=<folder> cmake --install <build>")
  endif()
endforeach()
if(NOT EXISTS "${LOQUENA_TEMPLATE}")
  message(FATAL_ERROR "No ${LOQUENA_TEMPLATE}: build the project before installing it")
endif()

set(_share "${CMAKE_INSTALL_PREFIX}/${LOQUENA_DATADIR}/loquena")
# Read by every user, written by nobody: the data build makes some files 0600.
set(_fileMode OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(_dirMode OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
             WORLD_EXECUTE)
# The trailing slash installs the folder's contents, whatever the folder's own name.
file(INSTALL "${_material}/" DESTINATION "${_share}/Data"
     FILE_PERMISSIONS ${_fileMode} DIRECTORY_PERMISSIONS ${_dirMode}
     PATTERN ".*" EXCLUDE)
# Not named pacmem.qp: installed with --prefix ~/.local, the material's folder
# is the user's program folder, whose pacmem.qp no install may replace.
file(INSTALL "${LOQUENA_TEMPLATE}" DESTINATION "${_share}" RENAME pacmem-empty.qp
     FILE_PERMISSIONS ${_fileMode})

# The menu entry, with the launcher's real path (the prefix given to
# `cmake --install`, without DESTDIR: where the files will finally be).
set(LOQUENA_LAUNCHER "${CMAKE_INSTALL_PREFIX}/${LOQUENA_BINDIR}/loquena")
if(LOQUENA_LAUNCHER MATCHES "[\"`$\\\\]")
  message(FATAL_ERROR "The menu entry cannot name ${LOQUENA_LAUNCHER}: choose a prefix without \", `, $ or \\")
elseif(LOQUENA_LAUNCHER MATCHES "[ \t'<>~|&;*?#()]")
  set(LOQUENA_EXEC "\"${LOQUENA_LAUNCHER}\"")
else()
  set(LOQUENA_EXEC "${LOQUENA_LAUNCHER}")
endif()
configure_file("${LOQUENA_DESKTOP_IN}" "${LOQUENA_DESKTOP_OUT}" @ONLY)
file(INSTALL "${LOQUENA_DESKTOP_OUT}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${LOQUENA_DATADIR}/applications"
     FILE_PERMISSIONS ${_fileMode})

# A system icon theme with a cache finds a new icon only once the cache is
# made again; a staged install (DESTDIR) leaves that to the package's own hooks.
set(_hicolor "${CMAKE_INSTALL_PREFIX}/${LOQUENA_DATADIR}/icons/hicolor")
if("$ENV{DESTDIR}" STREQUAL "" AND EXISTS "${_hicolor}/icon-theme.cache")
  find_program(_iconCache gtk-update-icon-cache)
  if(_iconCache)
    execute_process(COMMAND "${_iconCache}" -q -t "${_hicolor}")
  endif()
endif()
