#pragma once
// The whole house look in one call, for a program's start-up before its first form: the classes every layout may
// name and every control family that has a look (the tab and page controls, the tab set). A program that counts
// bytes calls RegisterComponentClasses() and the registrations of the families it shows instead: a family it does
// not register shows as the plain system control, without a word.

void RegisterHouseLook();
