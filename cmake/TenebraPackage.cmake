# TENEBRA_DEVICE_ROOT, the device root the tools use by default: the build
# installs the package into it after every build, laid out as on the device,
# so that `tenebra` works out of the box. `cmake --install build --prefix DIR` lays out any
# other root the same way.
add_custom_target(device_root ALL
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${TENEBRA_DEVICE_ROOT}
  COMMENT "Installing the package into ${TENEBRA_DEVICE_ROOT}"
  VERBATIM)
foreach(target Tenebra tenebrasettings)
  if(TARGET ${target})
    add_dependencies(device_root ${target})
  endif()
endforeach()
