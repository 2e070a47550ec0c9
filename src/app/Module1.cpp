#include "app/Module1.h"

Module1Record Module1;
