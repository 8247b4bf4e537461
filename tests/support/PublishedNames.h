#pragma once
#include <list>
#include <string>

#include "Forms.h"

namespace testsupport {

// Publishes each name as a field of Form, as a form's class does for the components of its layout, for tests that
// read a layout onto a form of no class of its own. It must outlive the reading.
class TPublishedNames {
public:
    TPublishedNames(TCustomForm& Form, std::initializer_list<const char*> Names)
    {
        for (const char* name : Names) {
            FSlots.emplace_back(nullptr);
            Form.PublishField(name, FSlots.back());
        }
    }

private:
    std::list<TComponent*> FSlots;  // a list: each slot stays where it is while more are added
};

}  // namespace testsupport
