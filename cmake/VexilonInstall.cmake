# The installation as a user gets it: the viewer and the engine core in one folder, every
# channel plug-in in channels/, support libraries in 3rd/, the sample project in sample/. The
# build tree's bin folder has the same layout, and `cmake --install` copies it to the prefix.

# The support library folder exists even when no support library is built.
add_custom_target(install_layout ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/bin/3rd")

set(vexilon_programs)
foreach(target LumenViewer)
  if(TARGET ${target})
    list(APPEND vexilon_programs ${target})
  endif()
endforeach()
install(TARGETS Vexilon ${vexilon_programs}
  RUNTIME DESTINATION . LIBRARY DESTINATION . ARCHIVE DESTINATION lib)

set(vexilon_channel_plugins)
foreach(target BaseFileLoader BaseFileSaver BaseDirectory BaseCompressionTranslator
               BaseFileDialog ExampleClock ExamplePassRate)
  if(TARGET ${target})
    list(APPEND vexilon_channel_plugins ${target})
  endif()
endforeach()
install(TARGETS ${vexilon_channel_plugins}
  RUNTIME DESTINATION channels LIBRARY DESTINATION channels)

install(DIRECTORY DESTINATION 3rd)
if(TARGET sample_project)
  install(FILES "${CMAKE_BINARY_DIR}/bin/sample/Sample.lmr" "${CMAKE_BINARY_DIR}/bin/sample/Sample.cgr"
    DESTINATION sample)
endif()
