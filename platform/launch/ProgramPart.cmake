# Object libraries of the entry layer join Vesk.exe once the program target exists: it is
# created only when a component brings the program's entry point, and linking these parts
# into a program without one would break the build until then.
include_guard(GLOBAL)

function(vesk_entry_program_part lib)
  set_property(GLOBAL APPEND PROPERTY VESK_ENTRY_PARTS ${lib})
endfunction()

function(_vesk_entry_link_parts)
  if(TARGET Vesk)
    get_property(parts GLOBAL PROPERTY VESK_ENTRY_PARTS)
    get_property(registered GLOBAL PROPERTY VESK_PROGRAM_PARTS)
    foreach(p ${parts})
      if(NOT p IN_LIST registered)
        target_link_libraries(Vesk PRIVATE ${p})
      endif()
    endforeach()
  endif()
endfunction()

cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _vesk_entry_link_parts)
