#include "engine/ExecutionData.h"

#include "model/ExecutionValidationParameters.h"

ExecutionData::ExecutionData(std::shared_ptr<ExecutionValidationParameters> parameters)
    : m_executionParameters(std::move(parameters))
{
}
