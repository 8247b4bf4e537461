// The entry of every test program: the start-up the program itself makes before its first form, then the tests.
#include <gtest/gtest.h>

#include "ComponentClasses.h"

int main(int argc, char** argv)
{
    RegisterComponentClasses();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
