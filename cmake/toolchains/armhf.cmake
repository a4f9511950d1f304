# Cross build for armhf with Debian's cross compiler and multi-arch libraries;
# tests run through qemu-user, as binfmt is not mounted here.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(TENEBRA_TRIPLE arm-linux-gnueabihf)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
