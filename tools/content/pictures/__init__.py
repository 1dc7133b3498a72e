"""The pictures to colour, one module per topic, in topic order.

Each module names its topic in Vietnamese (TOPIC) and lists its scenes
(PICTURES) as lineart.Picture objects: a drawing function, a level and
whether the scene also makes a sample pair.
"""
import importlib

TOPIC_MODULES = ["animals", "sea", "vehicles", "home", "food", "toys", "space", "vietnam"]


def modules():
    return [importlib.import_module("pictures." + name) for name in TOPIC_MODULES]


def topics():
    """The topic names, topic 1 first."""
    return [m.TOPIC for m in modules()]


def all_pictures():
    """(topic number from 1, Picture) for every picture, in catalogue order."""
    return [(n, pic) for n, m in enumerate(modules(), 1) for pic in m.PICTURES]
