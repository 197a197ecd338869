// Messages the operations print.
#pragma once

constexpr const char* kInputParameterError = "Input parameter error! \n";
