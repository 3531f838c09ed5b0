// The program's entry point: no arguments are used; everything comes from Data/ and Output/
// below the working directory.

#include "app/CMainKestro.h"

int main()
{
    return RunKestro();
}
