// The command line of qtx-plan.
#pragma once

#include <cstdio>

#include "tools/plan_request.hpp"

enum class parse_result { plan, help, bad_usage };

// Fills request from argv; on bad_usage, says what was wrong on stderr.
parse_result parse_arguments(int argc, char** argv, plan_request* request);

void print_usage(std::FILE* out);
