# Installation: headers, the libraries in <prefix>/lib, pkg-config files and a CMake package
# (find_package(qvsip) gives the imported targets qvsip::qvsip_fftf, qvsip::qvsip_fft,
# qvsip::qvsip, and the FFTW 3 interface libraries qvsip::qvsip_fftw3 and qvsip::qvsip_fftw3f).
include(CMakePackageConfigHelpers)

set(QTX_INSTALLED_LIBRARIES qvsip_fftf qvsip_fft qvsip qvsip_fftw3 qvsip_fftw3f)
set(QTX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/qvsip)

install(FILES ${PROJECT_SOURCE_DIR}/include/qtx_fft.h ${PROJECT_SOURCE_DIR}/include/qvsip.h
              ${PROJECT_SOURCE_DIR}/include/vsip.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/qvsip/fftw3/fftw3.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qvsip/fftw3)
install(TARGETS ${QTX_INSTALLED_LIBRARIES} EXPORT qvsipTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT qvsipTargets NAMESPACE qvsip:: DESTINATION ${QTX_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/qvsipConfig.cmake.in
    ${PROJECT_BINARY_DIR}/qvsipConfig.cmake INSTALL_DESTINATION ${QTX_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/qvsipConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/qvsipConfig.cmake ${PROJECT_BINARY_DIR}/qvsipConfigVersion.cmake
        DESTINATION ${QTX_CMAKE_DIR})

# One pkg-config file per library, from one template. A library that needs other libraries of
# the package finds them at run time through its RUNPATH ($ORIGIN); the link gets the directory
# as -rpath-link too, since a cross linker does not search a library's RUNPATH.
function(qtx_pkg_config library description requires)
  set(QTX_PC_NAME ${library})
  # Extra compiler flags after the include directory, e.g. the FFTW 3 header's directory.
  set(QTX_PC_CFLAGS "-I\${includedir}${ARGN}")
  set(QTX_PC_DESCRIPTION "${description}")
  set(QTX_PC_REQUIRES "${requires}")
  set(QTX_PC_LIBS "-L\${libdir} -l${library}")
  if(requires)
    string(APPEND QTX_PC_LIBS " -Wl,-rpath-link,\${libdir}")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/library.pc.in
                 ${PROJECT_BINARY_DIR}/${library}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${library}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()

qtx_pkg_config(qvsip_fftf "Single-precision FFT engine" "")
qtx_pkg_config(qvsip_fft "Double-precision FFT engine" "")
# The FFTW 3 interface: programs include <fftw3.h>, found in its own directory.
qtx_pkg_config(qvsip_fftw3 "FFTW 3 interface, double precision, on the qvsip engine" "qvsip_fft"
               " -I\${includedir}/qvsip/fftw3")
qtx_pkg_config(qvsip_fftw3f "FFTW 3 interface, single precision, on the qvsip engine" "qvsip_fftf"
               " -I\${includedir}/qvsip/fftw3")
qtx_pkg_config(qvsip "VSIPL-subset signal-processing library on OpenMP" "qvsip_fftf qvsip_fft")
