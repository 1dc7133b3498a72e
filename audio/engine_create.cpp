#include <cstdlib>
#include <cstring>

#include "audio/engine_internal.h"

namespace {

int output_delay(Engine* engine, unsigned* microseconds) {
    if (!engine->output.state || !(engine->output.caps & output_has_status)) return -1;
    FilterNode* head = engine->output_head;
    unsigned value = 0;
    if (head->slots.output.get_status(head, &value) != 0) return -1;
    *microseconds = value;
    return 0;
}

}  // namespace

Engine* engine_create(const DecoderOps* decoder) {
    Engine* engine = static_cast<Engine*>(calloc(1, sizeof(Engine)));
    if (!engine) return nullptr;
    strcpy(engine->name_tag, "AUDIO");
    engine->output.caps = output_caps_default;
    engine->pcm.stereo = -1;
    registry_init(engine);
    engine->get_integer_variable = variable_get_integer;
    engine->get_string_variable = variable_get_string;
    engine->add_variable_watcher = variable_add_watcher;
    engine->remove_variable_watcher = variable_remove_watcher;
    engine->get_output_delay = output_delay;
    if (decoder) engine->decoder_ops = *decoder;
    if (engine->decoder_ops.create) {
        engine->decoder = engine->decoder_ops.create(audio::engine_read_input, engine);
        if (!engine->decoder) {
            free(engine);
            return nullptr;
        }
    }
    return engine;
}

void engine_destroy(Engine* engine) {
    if (!engine) return;
    registry_free(engine);
    if (engine->decoder && engine->decoder_ops.destroy)
        engine->decoder_ops.destroy(engine->decoder);
    free(engine->input.name);
    free(engine->output.name);
    free(engine);
}

namespace audio {

int engine_read_input(void* context, void* buffer, int size) {
    Engine* engine = static_cast<Engine*>(context);
    if (!engine->input.state) return -102;
    FilterNode* head = engine->input_head;
    int n = head->slots.input.read(head, buffer, size);
    if (n > 0) engine->input.position += n;
    return n;
}

}  // namespace audio
