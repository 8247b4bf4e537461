; The peer installer's folder removal: an NSIS stub whose only work is "RMDir /r" on one tree, run silently.
; makensis -DTARGET=<x86-unicode | amd64-unicode> -DTREE=<Windows path of the tree> -DOUT=<output file> rmdir-peer.nsi
; The peer's makers ship the 32-bit stub (x86-unicode); the 64-bit one is the peer of the x86_64 build.
Unicode true
Target ${TARGET}
OutFile "${OUT}"
SilentInstall silent
RequestExecutionLevel user

Section
  RMDir /r "${TREE}"
SectionEnd
