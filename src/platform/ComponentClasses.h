#pragma once
// The classes stored layouts may name. The program (and every test program) registers them once at start-up,
// before the first form reads its layout; a unit that brings new controls adds its line to the list.

void RegisterComponentClasses();
