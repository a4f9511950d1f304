# What both ARM builds share. The cross compiler's own folder
# (/usr/TRIPLE) holds its libc, libstdc++ and libobjc; the multi-arch folder
# (/usr/lib/TRIPLE) the libraries from the archive.
set(CMAKE_C_COMPILER ${TENEBRA_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${TENEBRA_TRIPLE}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${TENEBRA_TRIPLE} /usr)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_LIBRARY_ARCHITECTURE ${TENEBRA_TRIPLE})
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${TENEBRA_TRIPLE}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Plain char is signed on the device; Linux on ARM makes it unsigned.
set(CMAKE_C_FLAGS_INIT -fsigned-char)
set(CMAKE_CXX_FLAGS_INIT -fsigned-char)

# The programs find their libraries through the build's run path, as the
# emulator's loader does not read the host's cache for foreign folders.
set(CMAKE_BUILD_RPATH /usr/${TENEBRA_TRIPLE}/lib /usr/lib/${TENEBRA_TRIPLE})
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${CMAKE_SYSTEM_PROCESSOR};-L;/usr/${TENEBRA_TRIPLE})
