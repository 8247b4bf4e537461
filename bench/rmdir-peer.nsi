; The peer installer's folder removal: an NSIS stub whose only work is "RMDir /r" on one tree, run silently.
; makensis -DTREE=<Windows path of the tree> -DOUT=<output file> rmdir-peer.nsi
Unicode true
Target amd64-unicode
OutFile "${OUT}"
SilentInstall silent
RequestExecutionLevel user

Section
  RMDir /r "${TREE}"
SectionEnd
