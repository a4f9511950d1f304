# Cross build for arm64 with Debian's cross compiler and multi-arch libraries;
# tests run through qemu-user, as binfmt is not mounted here.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(TENEBRA_TRIPLE aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
