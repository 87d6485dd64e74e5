# The control's own cursors: each picture is a text file here (a "hotspot X Y" line, then 16 rows
# of '.' clear, '#' black, 'o' white), compiled into the module as its cursor resources.
set(_cursor_dir ${CMAKE_CURRENT_LIST_DIR})
set(CURSOR_ART_ENTRIES "")
foreach(_pair "201;bar" "202;cross_hair" "203;disc" "204;hand" "205;left_push" "206;right_push"
        "207;target")
  list(GET _pair 0 _id)
  list(GET _pair 1 _name)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_cursor_dir}/${_name}.txt)
  file(READ ${_cursor_dir}/${_name}.txt _art)
  string(APPEND CURSOR_ART_ENTRIES "    {${_id}, R\"art(${_art})art\"},\n")
endforeach()
configure_file(${_cursor_dir}/cursor_art.cpp.in ${CMAKE_CURRENT_BINARY_DIR}/cursor_art.cpp @ONLY)
