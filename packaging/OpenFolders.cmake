# Run by CPack on the staged files before it packs them: the folders installation made carry
# the umask of whoever built the package (0700 under umask 077), and dpkg would make them so
# on every machine the package is installed on, hiding the readme from users. Every folder
# is opened to all, as the system's own folders are.
file(GLOB_RECURSE folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS folders)
  if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
    file(CHMOD "${path}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
         GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
