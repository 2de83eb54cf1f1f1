#pragma once

// The shared virtual clock, under the name this folder's tests include.
#include "common/reloj_falso.h"
