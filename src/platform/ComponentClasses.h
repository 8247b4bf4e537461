#pragma once
// The classes that the stored layouts of every program may name. The program (and every test program) registers
// them once at start-up, before the first form reads its layout. Control units that only some programs use (the tab
// controls, the tab set) are not on the list, so that the others do not link them: a program that shows them
// registers their tables itself (the framework's tab styles do it together with their look).

void RegisterComponentClasses();
