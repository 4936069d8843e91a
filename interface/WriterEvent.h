#pragma once

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One progress event of a writer.
/// The writer makes it and passes it to Observer::update by reference. The object
/// is the writer's and changes for the next item: copy what you keep.
/// Its one virtual function is the destructor, host slot 0; new ones go after it.
class WriterEvent {
public:
    WriterEvent() = default;
    WriterEvent(int type, const std::string &itemText, int position, int count)
        : writeType(type), text(itemText), index(position), total(count) {}
    virtual ~WriterEvent() = default;

    int writeType = 0; ///< the writer's getWriteType; 10 marks table progress
    std::string text;  ///< the name of the item being written
    int index = 0;     ///< items already handled, counting from 0
    int total = 0;     ///< the source reader's getCount
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
