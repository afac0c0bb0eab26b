# Installed files and the Debian package (cpack -G DEB, or scripts/package).
include(GNUInstallDirs)
install(TARGETS ligamor-service RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET ligamor)
    install(TARGETS ligamor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES packaging/ligamor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES src/ui/ligamor.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
endif()
# systemd's own place for a package's units below the prefix, not the library
# folder (which is lib/<multiarch> on Debian).
install(FILES packaging/ligamor.service packaging/ligamor@.service DESTINATION lib/systemd/system)
# The settings directory, absolute whatever the prefix: the programs look for
# it there (/etc/ligamor). postinst gives it to the service's group.
install(DIRECTORY DESTINATION /etc/ligamor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ligamor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "integração dos arquivos do PAF-ECF ao banco de dados Firebird")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lê clientes, produtos, pré-vendas e itens que o PAF-ECF deixa no diretório de envio,\naplica cada linha ao banco de dados Firebird da loja e move os arquivos para o\ndiretório de resposta. A janela ligamor mostra o log; o serviço ligamor-service\nfaz o mesmo sem janela, sob o systemd.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Veldor Sistemas <suporte@veldor.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The client library is loaded at run time, so shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfbclient2, adduser")
# SERVIDOR=LOCAL opens the database through the embedded engine.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "firebird3.0-server-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/postinst ${CMAKE_SOURCE_DIR}/packaging/prerm ${CMAKE_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
