#include "CVHouseLook.h"

#include "CVInputStyle.h"
#include "CVProgressBarStyle.h"
#include "CVTabControlStyle.h"
#include "CVTabSetStyle.h"
#include "ComponentClasses.h"

void RegisterHouseLook()
{
    RegisterComponentClasses();
    // Tab controls before the tab set: the look pass tries added rules in the order added.
    RegisterTabControlStyle();
    RegisterTabSetStyle();
    RegisterProgressBarStyle();
    RegisterInputStyle();
}
