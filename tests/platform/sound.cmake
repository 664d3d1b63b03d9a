# The sound service is checked by ear: the test plays the bundled tones and
# records the sound server's null sink, so it runs inside with_pulseaudio.sh,
# which provides a server for the run (or tells the test why there is none).
add_executable(tst_pulsesoundplayer ${CMAKE_CURRENT_LIST_DIR}/tst_pulsesoundplayer.cpp)
target_link_libraries(tst_pulsesoundplayer PRIVATE vemi_pulsesound Qt6::Test)
target_compile_definitions(tst_pulsesoundplayer PRIVATE VEMI_SOUND_DIR="${VEMI_RUNTIME_DIR}/Sound")
add_dependencies(tst_pulsesoundplayer vemi_bundled_content)
add_test(NAME tst_pulsesoundplayer
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with_pulseaudio.sh $<TARGET_FILE:tst_pulsesoundplayer>)
set_tests_properties(tst_pulsesoundplayer PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT 60
    SKIP_RETURN_CODE 77)
