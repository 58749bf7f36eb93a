#include "jobs/JobRunner.h"

#include "jobs/BatchJob.h"
#include "jobs/SingleFileJob.h"
#include "jobs/TextJob.h"

namespace lockvale {

void RunJob(const JobRequest& request, JobHost& host) {
  switch (request.mode) {
    case JobMode::SingleFile:
      SingleFileJob(request, host).Run();
      break;
    case JobMode::Text:
      TextJob(request, host).Run();
      break;
    case JobMode::MultipleFiles:
      BatchJob(request, host).Run();
      break;
  }
}

}  // namespace lockvale
