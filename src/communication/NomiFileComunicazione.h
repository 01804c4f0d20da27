#pragma once

// The names derived from the listing live in common, where the workbook run reaches them too.
#include "common/NomiFileComunicazione.h"
