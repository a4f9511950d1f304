# TENEBRA_DEVICE_ROOT, the device root the tools use by default: the build
# installs the package into it after every build, laid out as on the device,
# so that `tenebra` works out of the box. `cmake --install build --prefix DIR` lays out any
# other root the same way.
# Beside the package it holds the directories every device has, so that a
# first write there succeeds as it does on a device.
set(TENEBRA_DEVICE_DIRECTORIES
  ${TENEBRA_DEVICE_ROOT}/var/mobile/Library/Preferences
  ${TENEBRA_DEVICE_ROOT}/var/run)
add_custom_target(device_root ALL
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${TENEBRA_DEVICE_ROOT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TENEBRA_DEVICE_DIRECTORIES}
  COMMENT "Installing the package into ${TENEBRA_DEVICE_ROOT}"
  VERBATIM)
foreach(target Tenebra tenebrasettings)
  if(TARGET ${target})
    add_dependencies(device_root ${target})
  endif()
endforeach()

# `deb`: the package as a Debian archive for the device's package manager,
# made from the same layout. The architecture names the layout of the paths
# used here, at the file system's root ("iphoneos-arm"); "iphoneos-arm64"
# would name the other one, everything under /var/jb.
set(TENEBRA_PACKAGE_VERSION 1.0.0)
set(TENEBRA_PACKAGE_ARCHITECTURE iphoneos-arm)
set(TENEBRA_DEB_STAGING ${CMAKE_BINARY_DIR}/deb-root)
set(TENEBRA_DEB
    ${CMAKE_BINARY_DIR}/com.kestrow.tenebra_${TENEBRA_PACKAGE_VERSION}_${TENEBRA_PACKAGE_ARCHITECTURE}.deb)
configure_file(${PROJECT_SOURCE_DIR}/cmake/control.in ${CMAKE_BINARY_DIR}/deb-control @ONLY)
find_program(DPKG_DEB dpkg-deb)
if(DPKG_DEB)
  add_custom_target(deb
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${TENEBRA_DEB_STAGING}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${TENEBRA_DEB_STAGING}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TENEBRA_DEB_STAGING}/DEBIAN
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/deb-control ${TENEBRA_DEB_STAGING}/DEBIAN/control
    COMMAND ${DPKG_DEB} --root-owner-group --build ${TENEBRA_DEB_STAGING} ${TENEBRA_DEB}
    BYPRODUCTS ${TENEBRA_DEB}
    COMMENT "Building ${TENEBRA_DEB}"
    VERBATIM)
  foreach(target Tenebra tenebrasettings)
    add_dependencies(deb ${target})
  endforeach()
  # The package test lists the archive.
  if(TARGET package_tests)
    target_compile_definitions(package_tests PRIVATE TENEBRA_DEB="${TENEBRA_DEB}")
    add_dependencies(package_tests deb)
  endif()
endif()
