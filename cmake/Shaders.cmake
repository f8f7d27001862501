# Compiles every GLSL stage file under a source folder into "<name>.spv" under
# an output folder, file names kept (spaces included). A file at the top of the
# source folder goes to <output>/Shaders/, one in a sub-folder <Scene>/ to
# <output>/<Scene>/Shaders/, the layout the game reads its shaders from.
# A shader that fails to compile fails the build.
# Every stage depends on every shared ".glsl" file: glslc's dependency files do
# not escape the blanks in the file names, so a build tool cannot read them and
# would compile those shaders again on every build.
function(kelvane_compile_shaders target source_dir output_dir)
  file(GLOB_RECURSE shader_sources CONFIGURE_DEPENDS
    "${source_dir}/*.vert" "${source_dir}/*.frag" "${source_dir}/*.tesc"
    "${source_dir}/*.tese" "${source_dir}/*.geom" "${source_dir}/*.comp")
  file(GLOB_RECURSE shader_includes CONFIGURE_DEPENDS "${source_dir}/*.glsl")
  set(outputs)
  foreach(source IN LISTS shader_sources)
    file(RELATIVE_PATH relative "${source_dir}" "${source}")
    get_filename_component(name "${relative}" NAME)
    get_filename_component(scene "${relative}" DIRECTORY)
    if(scene)
      set(output "${output_dir}/${scene}/Shaders/${name}.spv")
    else()
      set(output "${output_dir}/Shaders/${name}.spv")
    endif()
    get_filename_component(output_folder "${output}" DIRECTORY)
    add_custom_command(
      OUTPUT "${output}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${output_folder}"
      COMMAND ${GLSLC} --target-env=vulkan1.0 -Werror -I "${source_dir}" -o "${output}" "${source}"
      DEPENDS "${source}" ${shader_includes}
      COMMAND_EXPAND_LISTS
      COMMENT "Compiling shader ${relative}"
      VERBATIM)
    list(APPEND outputs "${output}")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
