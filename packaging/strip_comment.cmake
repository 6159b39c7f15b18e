# Run by CPack on the staged files: the programs are stripped already, but the compiler's
# identification in .comment stays unless it is removed by name, as Debian's own tools do.
find_program(OBJCOPY objcopy REQUIRED)
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND ${OBJCOPY} --remove-section=.comment ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
