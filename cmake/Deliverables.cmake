# The program Vesk.exe: the object libraries that components registered with
# vesk_program_parts(), linked with the Win32 import libraries.
get_property(parts GLOBAL PROPERTY VESK_PROGRAM_PARTS)
if(parts)
  add_executable(Vesk WIN32)
  target_link_libraries(Vesk PRIVATE ${parts} ${VESK_WIN_LIBS})
  vesk_stage_binary(Vesk)
endif()
