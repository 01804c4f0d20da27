#include "pdf/PdfWriter.h"
#include <gtest/gtest.h>
TEST(PdfWriter, Vuoto) {}
