# The program's layers, each one library, and which layer may use which. The map below is
# the one statement of the direction: the libraries link by it, and check_layers (a build
# step every library waits for) fails the build when a source includes a header of a
# layer it may not use.
#
#   app  ->  sheets, desktop, ui, cad, base      (the composition root uses every layer)
#   desktop -> ui, cad, base                     sheets -> cad, base
#   ui   ->  base                                cad    -> base
#   Win32 halves (Windows build only): ui/win -> ui, base;  cad/com -> cad, base;
#   desktop's Win32 files -> ui/win as well; app's entry -> every Win32 half.
set(QUILLON_LAYER_USES
  "base="
  "cad=base"
  "cad/com=cad,base"
  "sheets=cad,base"
  "ui=base"
  "ui/win=ui,base"
  "desktop=ui,ui/win,cad,cad/com,base"
  "app=sheets,desktop,ui,ui/win,cad,cad/com,base"
  "support=app,sheets,desktop,ui,cad,base")
