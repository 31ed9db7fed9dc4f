# Tests driven by shell scripts, included by both Windows builds; each script's first argument is the
# Wine loader of the build (the toolchain's emulator: /usr/lib/wine/wine for win32, wine64 for win64).
# Tests that restart the wineserver or use network namespaces run alone (RUN_SERIAL); exit code 77
# marks a test skipped.
set(scripted_wine ${CMAKE_CROSSCOMPILING_EMULATOR})
if(NOT scripted_wine)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(scripted_wine /usr/lib/wine/wine)
  else()
    set(scripted_wine /usr/lib/wine/wine64)
  endif()
endif()

add_test(NAME namespace_discovery
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/sampling/namespace_discovery.sh ${scripted_wine}
                 $<TARGET_FILE:quintrel_win_tests>)
set_tests_properties(namespace_discovery PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 300
                     LABELS "win;scripted")

# Photographs Wine's tray with the meter in it; leaves tray_screenshot.png in the build folder.
add_test(NAME tray_meter_screenshot
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/app/tray_screenshot.sh ${scripted_wine}
                 $<TARGET_FILE:quintrel_win_tests> ${CMAKE_BINARY_DIR})
set_tests_properties(tray_meter_screenshot PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 180
                     LABELS "win;scripted")

# The program as a user meets it, under Wine on its own screen in a network namespace: window, tray,
# menu, traffic log, profile, tray-only start and a start without the IP helper library. Screenshots
# stay in e2e-screenshots in the build folder.
add_test(NAME e2e_desktop
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e/desktop_e2e.sh ${scripted_wine} $<TARGET_FILE:Quintrel>
                 $<TARGET_FILE:qdriver> ${CMAKE_BINARY_DIR}/e2e-screenshots)
set_tests_properties(e2e_desktop PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 420
                     LABELS "win;scripted;e2e")

# Faults the running program must survive, each with the real program under Wine in its own network
# namespaces: the monitored interface gone and back under a new index; the log on a full disk,
# read-only and deleted, with more than 4 GiB in a minute; damaged and unwritable profiles.
# Screenshots stay in fault-screenshots in the build folder.
foreach(fault interface_outage log_disk_faults damaged_profile)
  add_test(NAME fault_${fault}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/faults/${fault}.sh ${scripted_wine} $<TARGET_FILE:Quintrel>
                   $<TARGET_FILE:qdriver> ${CMAKE_BINARY_DIR}/fault-screenshots)
  set_tests_properties(fault_${fault} PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 360
                       LABELS "win;scripted;faults")
endforeach()

# A library named like the IP helper, planted beside the program and in its working folder with
# Wine searching native libraries first: the program must load the system's one.
add_test(NAME fault_planted_library
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/faults/planted_library.sh ${scripted_wine} $<TARGET_FILE:Quintrel>
                 $<TARGET_FILE:qdriver> $<TARGET_FILE:planted_iphlpapi> ${CMAKE_BINARY_DIR}/fault-screenshots)
set_tests_properties(fault_planted_library PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 240
                     LABELS "win;scripted;faults")

# Configure, the preset editor and About worked with real clicks, drags and keys from a fresh profile,
# checked in their controls, the profile and a restart. Screenshots stay in e2e-dialog-screenshots.
add_test(NAME e2e_dialogs
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e/dialogs_e2e.sh ${scripted_wine} $<TARGET_FILE:Quintrel>
                 $<TARGET_FILE:qdriver> ${CMAKE_BINARY_DIR}/e2e-dialog-screenshots)
set_tests_properties(e2e_dialogs PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 300
                     LABELS "win;scripted;e2e")

# A first start among a dozen idle links and one busy one, with no profile: the meter watches the busy
# link, and logs appear only for the interfaces watched. Screenshots stay in first-start-screenshots.
add_test(NAME e2e_first_start
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e/first_start_e2e.sh ${scripted_wine} $<TARGET_FILE:Quintrel>
                 $<TARGET_FILE:qdriver> ${CMAKE_BINARY_DIR}/first-start-screenshots)
set_tests_properties(e2e_first_start PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 300
                     LABELS "win;scripted;e2e")

# The meter at 96, 144 and 192 DPI under Wine: the window's size, the panel's pixels and text at each,
# and screenshots of the window, Configure, Usage and About. Screenshots stay in dpi-screenshots.
add_test(NAME e2e_dpi
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e/dpi_e2e.sh ${scripted_wine} $<TARGET_FILE:Quintrel>
                 $<TARGET_FILE:qdriver> ${CMAKE_BINARY_DIR}/dpi-screenshots)
set_tests_properties(e2e_dpi PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 300
                     LABELS "win;scripted;e2e")

# The taskbar readout on the real taskbar of Wine's shell desktop at 96 and 192 DPI: its place, its
# picture on the screen, the theme's colours, a full-screen window, an auto-hiding taskbar and a
# restarted shell. Screenshots stay in taskbar-screenshots in the build folder.
add_test(NAME readout_on_shell
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/taskbar/readout_on_shell.sh ${scripted_wine}
                 $<TARGET_FILE:quintrel_win_tests> ${CMAKE_BINARY_DIR}/taskbar-screenshots)
set_tests_properties(readout_on_shell PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 240
                     LABELS "win;scripted")

# The right link on every machine: the real program with an IP helper library in the prefix's system
# folder whose table a file says: Configure's list without filter rows (and with "Show all"), the
# chosen adapter found after its row and index went to others, a missing one waited for, "All links"
# logging the exact sum. Screenshots stay in links-screenshots in the build folder.
add_test(NAME e2e_links
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e/links_e2e.sh ${scripted_wine} $<TARGET_FILE:Quintrel>
                 $<TARGET_FILE:qdriver> $<TARGET_FILE:links_iphlpapi> ${CMAKE_BINARY_DIR}/links-screenshots)
set_tests_properties(e2e_links PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 480
                     LABELS "win;scripted;e2e")
