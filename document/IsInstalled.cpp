#include "IsInstalled.h"

void CheckWordInstalled(office::Office&, Prompts&) {}
