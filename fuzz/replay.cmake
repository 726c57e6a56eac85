# The fuzz corpora replayed as ordinary tests, so that every build checks every
# seed and every past finding with the fuzz entries' own rules. Included from
# tests/, so it needs no clang.
set(fuzz_dir ${PROJECT_SOURCE_DIR}/fuzz)
add_executable(marrowick_fuzz_replay ${fuzz_dir}/harness.cpp)
target_link_libraries(marrowick_fuzz_replay PRIVATE object_file ui_common marrowick_warnings)
foreach(name scan decode thumbnail archive)
    add_test(NAME fuzz_replay_${name}
        COMMAND marrowick_fuzz_replay ${name} ${fuzz_dir}/corpus/${name})
endforeach()
