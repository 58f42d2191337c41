// The system's declarations of what kebo_base.idl stands for.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <oleauto.h>
