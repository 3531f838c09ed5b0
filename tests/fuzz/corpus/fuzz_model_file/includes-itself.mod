#include Fuzz.mod
.GRAVITY G { }
