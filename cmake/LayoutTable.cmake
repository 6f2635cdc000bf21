# The floors of the house, lowest first. A file may include files of its own floor and of the floors
# below it; an include that climbs to a higher floor fails the layout test unless it is listed in
# LAYOUT_EXCEPTIONS below. A folder belongs to the floor of its longest listed prefix, so
# "naval/ui" is a frame folder while "naval" is a model folder. Folders not listed (tests/,
# benchmarks/) are not checked. docs/layout.md draws the same table.
set(LAYOUT_FLOORS
  # The model: no Qt, no GL.
  "foundation"
  "platform"
  "document"
  "surfaces entities curvenet"
  "naval"
  "hulls exchange"
  "startup"
  # The GUI.
  "platform/qt"
  "controls"
  "views"
  "document/ui entities/ui curvenet/ui naval/ui hulls/ui exchange/ui"
  "shell")

# Includes allowed to climb, each "including file => included file -- why" (paths as regexes).
# Every entry is a known debt: take it out when the climb is gone, and the test keeps it gone.
set(LAYOUT_EXCEPTIONS
  # GUI.
  # The frame's "?" buttons open the program's Help tool window on their topic. That window is a tool
  # window of the main window: moving it down would take the tool-window base and the main window's
  # hub with it.
  "hulls/ui/TarvoHullFrame\\.cpp => shell/HelpFloat\\.h -- the frame opens the Help window on a topic"
)
