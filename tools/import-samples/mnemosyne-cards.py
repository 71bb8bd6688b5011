#!/usr/bin/env python3
"""Writes a Mnemosyne .cards file with Mnemosyne's own library, driven without a window (its
script mode), in a scratch data folder.
    mnemosyne-cards.py OUTPUT.cards   (PYTHONPATH names where Mnemosyne's modules are)"""
import os
import sys
import tempfile

from mnemosyne.script import Mnemosyne


def main():
    out = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as data:
        mnemosyne = Mnemosyne(data)
        controller = mnemosyne.controller()
        for plugin in mnemosyne.plugins():
            if plugin.__class__.__name__ == "ClozePlugin":
                plugin.activate()
        card_type = {c.id: c for c in mnemosyne.card_types()}
        for card_type_id, fact_data in (
                ("1", {"f": "Ottawa", "b": "capital of <b>Canada</b>"}),
                ("2", {"f": "red", "b": "rouge"}),
                ("3", {"f": "chien", "p_1": "ʃjɛ̃", "m_1": "dog", "n": "m."}),
                ("1", {"f": "bark <audio src=\"bark.mp3\">", "b": "aboyer"}),
                ("5", {"text": "The [Rhine] flows into the [North Sea]."})):
            controller.create_new_cards(fact_data, card_type[card_type_id], grade=-1,
                                        tag_names=["sample"])
        for file_format in mnemosyne.component_manager.all("file_format"):
            if file_format.__class__.__name__ == "Mnemosyne2Cards":
                file_format.do_export(out, used_for_merging_dbs=True)
        mnemosyne.finalise()


if __name__ == "__main__":
    main()
