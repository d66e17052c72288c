#include "run_all_tests.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return runAllTestsAndEnd();
}
