# The Windows installer: ligamor-<version>.msi from packaging/windows/ligamor.wxs,
# made by wixl (Debian's package wixl, of msitools) from the cross build:
#   cmake --build <build> --target msi
# The installer's version is the project's. The executables go in stripped
# copies; the build's own keep their symbols for the tests. wixl takes sources
# relative to its working folder only, hence the staging folder.
find_program(LIGAMOR_WIXL wixl)
if(NOT LIGAMOR_WIXL)
    message(STATUS "wixl not found: no target msi")
    return()
endif()
set(LIGAMOR_MSI_STAGE ${CMAKE_BINARY_DIR}/msi)
set(LIGAMOR_MSI ${CMAKE_BINARY_DIR}/ligamor-${PROJECT_VERSION}.msi)
set(LIGAMOR_MSI_SERVICE ${LIGAMOR_MSI_STAGE}/ligamor-service.exe)
set(LIGAMOR_MSI_WINDOW ${LIGAMOR_MSI_STAGE}/ligamor.exe)
file(MAKE_DIRECTORY ${LIGAMOR_MSI_STAGE})
add_custom_command(
    OUTPUT ${LIGAMOR_MSI}
    COMMAND ${CMAKE_STRIP} -o ${LIGAMOR_MSI_SERVICE} $<TARGET_FILE:ligamor-service>
    COMMAND ${CMAKE_STRIP} -o ${LIGAMOR_MSI_WINDOW} $<TARGET_FILE:ligamor>
    COMMAND ${LIGAMOR_WIXL} -a x64 -D Version=${PROJECT_VERSION} -D ServiceExe=ligamor-service.exe
            -D WindowExe=ligamor.exe -o ${LIGAMOR_MSI} ${CMAKE_SOURCE_DIR}/packaging/windows/ligamor.wxs
    DEPENDS ligamor-service ligamor ${CMAKE_SOURCE_DIR}/packaging/windows/ligamor.wxs
    WORKING_DIRECTORY ${LIGAMOR_MSI_STAGE}
    VERBATIM)
add_custom_target(msi DEPENDS ${LIGAMOR_MSI})
