// ActiveX control support (containment side only).
#pragma once
#include "afxdisp.h"
