// Real files written by other programs, which some tests read when they are
// there. Their folder comes from the environment variable QUILLON_SAMPLES;
// when it is not set, from ../shared/testdata beside the source tree, if
// that exists. Set to an empty value, it turns the real-file tests off.
//
//   std::string path = SamplePath("ild/astroid.ild");
//   if (path.empty()) GTEST_SKIP() << MissingSample("ild/astroid.ild");
//
// Every behaviour these files exercise is also covered by small files that
// the tests make themselves, so a tree with nothing beside it tests it all.
#pragma once

#include <string>

// The folder in use, or "" when there is none.
std::string SamplesFolder();

// The full path of a file in the samples folder (relative uses "/"), or ""
// when there is no folder or no such file. A folder named explicitly in
// QUILLON_SAMPLES that lacks the file is a test failure, not a skip: the
// variable was set so that the file would be read.
std::string SamplePath(const std::string& relative);

// The skip message: which file is missing and how QUILLON_SAMPLES names the
// folder that should hold it.
std::string MissingSample(const std::string& relative);
