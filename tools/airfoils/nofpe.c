/* Preloaded into xfoil so that it runs with floating-point traps off.
 *
 * Debian's xfoil is built with gfortran's -ffpe-trap, and its main program arms the traps through
 * _gfortran_set_fpe() before anything else runs. On this platform that makes it die with SIGFPE at
 * the first viscous operating point, in arithmetic whose inf/NaN results xfoil itself detects and
 * handles (a non-converged point). Replacing that call with one that disarms every trap lets the
 * batch run go on; a constructor does the same for anything that ran before it.
 */
#define _GNU_SOURCE
#include <fenv.h>

void _gfortran_set_fpe(int flags)
{
    (void)flags;
    fedisableexcept(FE_ALL_EXCEPT);
}

__attribute__((constructor)) static void DisarmTrapsAtLoad(void)
{
    fedisableexcept(FE_ALL_EXCEPT);
}
