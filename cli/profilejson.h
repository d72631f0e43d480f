// The execution profile of a run as the JSON that --profile writes.
#pragma once

#include <QByteArray>

#include "veskrunner.h"

// {"steps": N, "lines": [{"line": 1, "steps": n}, ...], "cells": [{"cell": "0001", "writes": n}, ...]}
// Every line of the program in order, numbered from 1 as the editor shows
// them; the cells stored into, by address. The outcome must carry a profile.
[[nodiscard]] QByteArray ProfileJson(const TRunOutcome& outcome);
