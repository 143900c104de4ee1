// Assemble and Load: the program in the grid becomes machine code in memory.
#include "main_form.h"

void TMainForm::actAssemblyRunExecute() {}
void TMainForm::actAssemblyLoadExecute() {}
