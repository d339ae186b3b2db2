#pragma once

namespace office {
class Office;
}
class Prompts;

// Checks that the office can be started; when it cannot, explains how to repair it and
// ends the program.
void CheckWordInstalled(office::Office& office, Prompts& prompts);
