#include "ComponentClasses.h"

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "LayoutReader.h"
#include "StdCtrls.h"

// An explicit list: self-registering objects in the units would be dropped by the linker from the static library.
void RegisterComponentClasses()
{
    TClassRegistry& registry = TClassRegistry::Instance();
    RegisterStdCtrlsClasses(registry);
    RegisterButtonsClasses(registry);
    RegisterExtCtrlsClasses(registry);
    RegisterComCtrlsClasses(registry);
    RegisterFormsClasses(registry);
}
