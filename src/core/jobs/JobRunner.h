#pragma once

#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

namespace lockvale {

// The Execute command: runs the job of the request's mode. Unexpected errors are
// thrown to the caller, which reports them.
void RunJob(const JobRequest& request, JobHost& host);

}  // namespace lockvale
